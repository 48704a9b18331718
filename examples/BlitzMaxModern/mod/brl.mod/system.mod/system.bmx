SuperStrict

Rem
bbdoc: System/System
about: Requesters, notifications and the system driver that runs the event loop.
A program needs a driver as well: BRL.SystemDefault provides one.
End Rem
Module BRL.System

ModuleInfo "Version: 1.31"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Blitz

Rem
bbdoc: What a system driver does
End Rem
Type TSystemDriver Abstract
	Method Poll() Abstract
	Method Notify(text:String, serious:Int) Abstract
	Method Confirm:Int(text:String, serious:Int) Abstract
	Method OpenURL:Int(url:String) Abstract
End Type

Global SystemDriver:TSystemDriver

Rem
bbdoc: Show a message and wait until it is closed
End Rem
Function Notify(text:String, serious:Int = False)
	SystemDriver.Notify(text, serious)
End Function

Rem
bbdoc: Ask a question that is answered with yes or no
returns: True when the answer is yes
End Rem
Function Confirm:Int(text:String, serious:Int = False)
	Return SystemDriver.Confirm(text, serious)
End Function

Rem
bbdoc: Handle the events that are waiting
End Rem
Function PollSystem()
	If SystemDriver Then SystemDriver.Poll()
End Function

?bmxng
Rem
bbdoc: Open a file or a web page with the program the system uses for it
End Rem
Function OpenURL:Int(url:String)
	Return SystemDriver.OpenURL(url)
End Function
?
