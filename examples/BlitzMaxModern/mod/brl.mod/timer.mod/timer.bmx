SuperStrict

Rem
bbdoc: Time/Timer
about: Timers that tick a number of times a second. The timers themselves come
from a timer driver: BRL.TimerDefault provides one.
End Rem
Module BRL.Timer

ModuleInfo "Version: 1.05"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Blitz

Const EVENT_TIMERTICK:Int = $801

Rem
bbdoc: A timer, made by CreateTimer
End Rem
Type TTimer Abstract
	Method Ticks:Int() Abstract
	Method Wait:Int() Abstract
	Method Stop() Abstract
End Type

Rem
bbdoc: Makes the timers; the timer driver sets it
End Rem
Type TTimerFactory Abstract
	Method Create:TTimer(hertz:Float) Abstract
End Type

Global TimerFactory:TTimerFactory

Rem
bbdoc: Create a timer that ticks @hertz times a second
about: Each tick sends an EVENT_TIMERTICK event.
End Rem
Function CreateTimer:TTimer(hertz:Float)
	If Not TimerFactory Then RuntimeError "No timer driver: import BRL.TimerDefault"
	Return TimerFactory.Create(hertz)
End Function

Rem
bbdoc: Wait for the next tick of a timer
returns: The ticks since the last call
End Rem
Function WaitTimer:Int(timer:TTimer)
	Return timer.Wait()
End Function

Rem
bbdoc: The ticks of a timer since it was made
End Rem
Function TimerTicks:Int(timer:TTimer)
	Return timer.Ticks()
End Function

Rem
bbdoc: Stop a timer for good
End Rem
Function StopTimer(timer:TTimer)
	timer.Stop()
End Function
