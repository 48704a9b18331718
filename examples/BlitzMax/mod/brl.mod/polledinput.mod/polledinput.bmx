SuperStrict

Rem
bbdoc: User input/Polled input
about: Keyboard and mouse state, asked for whenever the program likes.
End Rem
Module BRL.PolledInput

ModuleInfo "Version: 1.03"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Blitz

Const KEY_ESCAPE:Int=27
Const KEY_SPACE:Int=32
Const KEY_LEFT:Int=37
Const KEY_UP:Int=38
Const KEY_RIGHT:Int=39
Const KEY_DOWN:Int=40

Global keyStates:Int[256],keyHits:Int[256]
Global mouseStates:Int[4],mouseHits:Int[4]
Global mouseLocationX:Int,mouseLocationY:Int
Global appTerminateRequested:Int

Rem
bbdoc: How often a key was hit since the last call
End Rem
Function KeyHit:Int( key:Int )
	Local n:Int=keyHits[key]
	keyHits[key]=0
	Return n
End Function

Rem
bbdoc: Whether a key is held down
End Rem
Function KeyDown:Int( key:Int )
	Return keyStates[key]
End Function

Function FlushKeys()
	For Local k:Int=0 Until 256
		keyStates[k]=0
		keyHits[k]=0
	Next
End Function

Function MouseX:Int()
	Return mouseLocationX
End Function

Function MouseY:Int()
	Return mouseLocationY
End Function

Function MouseHit:Int( button:Int )
	Local n:Int=mouseHits[button]
	mouseHits[button]=0
	Return n
End Function

Function MouseDown:Int( button:Int )
	Return mouseStates[button]
End Function

Rem
bbdoc: Whether the user asked the program to close
End Rem
Function AppTerminate:Int()
	Local n:Int=appTerminateRequested
	appTerminateRequested=False
	Return n
End Function
