SuperStrict

Rem
bbdoc: User input/Polled input
about: The state of the keyboard and the mouse, asked for when it is needed.
End Rem
Module BRL.PolledInput

ModuleInfo "Version: 1.03"
ModuleInfo "Author: Veltrane example installation"

Import BRL.System
Import BRL.KeyCodes

Global keyStates:Int[256]

Rem
bbdoc: Whether a key is held down
End Rem
Function KeyDown:Int(key:Int)
	Return keyStates[key]
End Function

Rem
bbdoc: Whether the user asked the program to close
End Rem
Function AppTerminate:Int()
	Return False
End Function
