SuperStrict

Rem
bbdoc: GUI/GTK3 driver
about: The MaxGUI driver of Linux and the Raspberry Pi. Elsewhere the module
is empty.
End Rem
Module MaxGUI.GTK3MaxGUI

ModuleInfo "Version: 0.80"
ModuleInfo "Author: Veltrane example installation"

?Linux Or raspberrypi
Import MaxGUI.MaxGUI
Import BRL.SystemDefault

Type TGTK3GUIDriver Extends TMaxGUIDriver
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

maxgui_driver = New TGTK3GUIDriver
?
