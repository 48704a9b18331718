SuperStrict

Rem
bbdoc: System/Default system driver
about: The system driver of the desktop platforms. It sets itself up when the
program starts, so a program only has to import it.
End Rem
Module BRL.SystemDefault

ModuleInfo "Version: 1.03"
ModuleInfo "Author: Veltrane example installation"

Import BRL.System

Type TDefaultSystemDriver Extends TSystemDriver
	Method Poll()
		bbSystemPoll()
	End Method
	Method Notify(text:String, serious:Int)
		bbSystemNotify(text, serious)
	End Method
	Method Confirm:Int(text:String, serious:Int)
		Return bbSystemConfirm(text, serious)
	End Method
	Method OpenURL:Int(url:String)
		Return bbOpenURL(url)
	End Method
End Type

SystemDriver = New TDefaultSystemDriver

Private

Extern "C"
Function bbSystemPoll()
Function bbSystemNotify(text:String, serious:Int)
Function bbSystemConfirm:Int(text:String, serious:Int)
Function bbOpenURL:Int(url:String)
End Extern
