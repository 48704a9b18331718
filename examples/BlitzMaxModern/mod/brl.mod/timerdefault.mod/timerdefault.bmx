SuperStrict

Rem
bbdoc: Time/Default timer driver
about: The timers of the desktop platforms. They set themselves up when the
program starts, so a program only has to import this module.
End Rem
Module BRL.TimerDefault

ModuleInfo "Version: 1.02"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Timer
Import BRL.SystemDefault

Type TDefaultTimer Extends TTimer
	Field hertz:Float
	Field count:Int
	Field waited:Int

	Method Ticks:Int()
		Return count
	End Method

	Method Wait:Int()
		While count = waited
			PollSystem()
		Wend
		Local done:Int = count - waited
		waited = count
		Return done
	End Method

	Method Stop()
		StopTicking(Self)
	End Method
End Type

Type TDefaultTimerFactory Extends TTimerFactory
	Method Create:TTimer(hertz:Float)
		Local timer:TDefaultTimer = New TDefaultTimer
		timer.hertz = hertz
		StartTicking(timer)
		Return timer
	End Method
End Type

TimerFactory = New TDefaultTimerFactory

Private

Function StartTicking(timer:TDefaultTimer)
End Function

Function StopTicking(timer:TDefaultTimer)
End Function
