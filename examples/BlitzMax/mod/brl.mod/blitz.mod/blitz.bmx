SuperStrict

Rem
bbdoc: BASIC/BlitzMax runtime
about: The core of every BlitzMax program: error handling, timing and debugging.
End Rem
Module BRL.Blitz

ModuleInfo "Version: 1.02"
ModuleInfo "Author: Veltrane example installation"
ModuleInfo "License: Public domain"

Rem
bbdoc: The base of every runtime error
End Rem
Type TBlitzException
	Method ToString:String()
		Return "Unknown exception"
	End Method
End Type

Type TRuntimeException Extends TBlitzException
	Field error:String
	Method ToString:String()
		Return error
	End Method
	Function Create:TRuntimeException( error:String )
		Local t:TRuntimeException=New TRuntimeException
		t.error=error
		Return t
	End Function
End Type

Extern "C"
Function bbMilliSecs:Int()
Function bbDelay( millis:Int )
Function bbGCCollect:Int()
End Extern

Rem
bbdoc: Stop the program with an error message
End Rem
Function RuntimeError( message:String )
	Throw TRuntimeException.Create( message )
End Function

Rem
bbdoc: Write a message to the debug log
End Rem
Function DebugLog( message:String )
	WriteDebugText message
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
Function Delay( millis:Int )
	bbDelay millis
End Function

Function GCCollect:Int()
	Return bbGCCollect()
End Function

Private

Global debugText:String

Function WriteDebugText( text:String )
	debugText:+text+"~n"
End Function

Public

Function DebugText:String()
	Return debugText
End Function
