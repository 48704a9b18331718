SuperStrict

Rem
bbdoc: System/SDL system driver
about: Events, input and requesters of a program whose window SDL opens.
End Rem
Module SDL.SDLSystem

ModuleInfo "Version: 1.01"
ModuleInfo "Author: Veltrane example installation"

Import BRL.System

Type TSDLSystemDriver Extends TSystemDriver
	Method Poll()
	End Method
End Type
