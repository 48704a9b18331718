SuperStrict

Rem
bbdoc: GUI/Cocoa driver
about: The MaxGUI driver of macOS. Elsewhere the module is empty.
End Rem
Module MaxGUI.CocoaMaxGUI

ModuleInfo "Version: 0.80"
ModuleInfo "Author: Veltrane example installation"

?MacOS
Import MaxGUI.MaxGUI
Import BRL.SystemDefault

Type TCocoaGUIDriver Extends TMaxGUIDriver
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

maxgui_driver = New TCocoaGUIDriver
?
