SuperStrict

Rem
bbdoc: GUI/Windows driver
about: The MaxGUI driver of Windows. Elsewhere the module is empty.
End Rem
Module MaxGUI.Win32MaxGUIEx

ModuleInfo "Version: 0.80"
ModuleInfo "Author: Veltrane example installation"

?Win32
Import MaxGUI.MaxGUI
Import BRL.SystemDefault

Type TWindowsGUIDriver Extends TMaxGUIDriver
	Method MakeGadget:TGadget(kind:Int, text:String, x:Int, y:Int, width:Int, height:Int, group:TGadget)
		Local gadget:TGadget = New TGadget
		gadget.text = text
		gadget.parent = group
		Return gadget
	End Method
	Method Activate(gadget:TGadget)
	End Method
	Method WaitEvent:Int()
		PollSystem()
		Return 0
	End Method
End Type

maxgui_driver = New TWindowsGUIDriver
?
