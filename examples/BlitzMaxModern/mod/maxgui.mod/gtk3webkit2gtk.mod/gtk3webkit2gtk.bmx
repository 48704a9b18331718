SuperStrict

Rem
bbdoc: GUI/GTK3 HTML view
about: Draws the pages of CreateHTMLView's gadgets on Linux through WebKit.
Nothing names it: it puts its view maker in place when the program starts.
Elsewhere the module is empty.
End Rem
Module MaxGUI.GTK3WebKit2GTK

ModuleInfo "Version: 0.40"
ModuleInfo "Author: Veltrane example installation"

?Linux
Import MaxGUI.GTK3MaxGUI

Type TGTK3WebKitViewMaker
	Method Make:TGadget(x:Int, y:Int, width:Int, height:Int, group:TGadget)
		Local view:TGadget = New TGadget
		view.parent = group
		Return view
	End Method
End Type

Global webViewMaker:TGTK3WebKitViewMaker = New TGTK3WebKitViewMaker
?
