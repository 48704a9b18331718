SuperStrict

Rem
bbdoc: BASIC/BlitzMax runtime
about: What every program has without importing it: errors, timing and debugging.
End Rem
Module BRL.Blitz

ModuleInfo "Version: 1.27"
ModuleInfo "Author: Veltrane example installation"
ModuleInfo "License: Public domain"

?bmxng
ModuleInfo "CC_OPTS: -std=gnu99"
?

Extern "C"
Function bbMilliSecs:Int()
Function bbDelay(millis:Int)
End Extern

Rem
bbdoc: The base of every runtime error
End Rem
Type TBlitzException
	Method ToString:String()
		Return "Unknown exception"
	End Method
End Type

Rem
bbdoc: Stop the program with an error message
End Rem
Function RuntimeError(message:String)
	Throw New TBlitzException
End Function

Rem
bbdoc: Write a message to the debug log
End Rem
Function DebugLog(message:String)
End Function

Rem
bbdoc: Milliseconds since the computer was started
End Rem
Function MilliSecs:Int()
	Return bbMilliSecs()
End Function

Rem
bbdoc: Wait for a number of milliseconds
End Rem
Function Delay(millis:Int)
	bbDelay millis
End Function
