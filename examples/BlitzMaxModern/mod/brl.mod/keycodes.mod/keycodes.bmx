SuperStrict

Rem
bbdoc: User input/Key codes
about: The codes of the keys, as KeyDown and the key events give them.
The module holds nothing else.
End Rem
Module BRL.KeyCodes

ModuleInfo "Version: 1.02"
ModuleInfo "Author: Veltrane example installation"

Const KEY_BACKSPACE:Int = 8
Const KEY_TAB:Int = 9
Const KEY_ENTER:Int = 13
Const KEY_ESCAPE:Int = 27
Const KEY_SPACE:Int = 32
Const KEY_LEFT:Int = 37
Const KEY_UP:Int = 38
Const KEY_RIGHT:Int = 39
Const KEY_DOWN:Int = 40
