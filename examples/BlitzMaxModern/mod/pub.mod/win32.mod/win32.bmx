SuperStrict

Rem
bbdoc: Windows/Win32
about: A few functions of the Windows API. Elsewhere the module is empty.
End Rem
Module Pub.Win32

ModuleInfo "Version: 1.00"
ModuleInfo "Author: Veltrane example installation"

?Win32
Import BRL.Blitz

Const MB_OK:Int = 0
Const MB_ICONASTERISK:Int = $40

Rem
bbdoc: A rectangle in window coordinates
End Rem
Struct RECT
	Field left:Int, top:Int, right:Int, bottom:Int
End Struct

Extern "win32"

Rem
bbdoc: Make the taskbar button of a window blink once
End Rem
Function FlashWindow:Int(hwnd:Byte Ptr, invert:Int)

Rem
bbdoc: Play one of the system's sounds
End Rem
Function MessageBeep:Int(kind:Int)

Function GetForegroundWindow:Byte Ptr()

Rem
bbdoc: Let the thread wait for a number of milliseconds
End Rem
Function Sleep(milliseconds:Int)

End Extern
?
