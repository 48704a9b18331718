SuperStrict

Rem
bbdoc: System/Processes
about: Start other programs and talk to them through pipes.
End Rem
Module Pub.FreeProcess

ModuleInfo "Version: 1.03"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Stream

Import "freeprocess.c"

Extern "C"
Function fdProcess:Int( command:String,procin:Int Ptr,procout:Int Ptr,flags:Int )="fdProcess"
Function fdClose:Int( fd:Int )="fdClose"
Function fdTerminateProcess:Int( pid:Int )="fdTerminateProcess"
End Extern

Rem
bbdoc: A program started by this one
End Rem
Type TProcess
	Field name:String
	Field handle:Int
	Method Terminate:Int()
		Return fdTerminateProcess( handle )
	End Method
End Type

Rem
bbdoc: Start a program
End Rem
Function CreateProcess:TProcess( cmd:String,flags:Int=0 )
	Local p:TProcess=New TProcess
	p.name=cmd
	Return p
End Function

Function ProcessStatus:Int( process:TProcess )
	Return process.handle<>0
End Function

Function TerminateProcess:Int( process:TProcess )
	Return process.Terminate()
End Function
