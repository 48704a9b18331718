SuperStrict

Rem
bbdoc: GUI/MaxGUI
about: Windows, buttons, labels and the other gadgets, and the events they send.
The gadgets themselves come from a driver: MaxGUI.Drivers imports the one of
the platform the program is built for.
End Rem
Module MaxGUI.MaxGUI

ModuleInfo "Version: 0.96"
ModuleInfo "Author: Veltrane example installation"
ModuleInfo "Modserver: BRL"

Import BRL.System
Import BRL.Pixmap

Const WINDOW_TITLEBAR:Int = 1
Const WINDOW_RESIZABLE:Int = 2
Const WINDOW_MENU:Int = 4
Const WINDOW_STATUS:Int = 8
Const WINDOW_CLIENTCOORDS:Int = 16
Const WINDOW_DEFAULT:Int = WINDOW_TITLEBAR | WINDOW_RESIZABLE | WINDOW_MENU | WINDOW_STATUS

Const EVENT_KEYDOWN:Int = $101
Const EVENT_GADGETACTION:Int = $2001
Const EVENT_WINDOWCLOSE:Int = $4001

Const QUERY_HWND:Int = 1

Rem
bbdoc: A gadget: a window or anything placed in one
End Rem
Type TGadget
	Field x:Int, y:Int, width:Int, height:Int
	Field text:String
	Field enabled:Int = True
	Field parent:TGadget
	Field handle:Byte Ptr
End Type

Rem
bbdoc: What a MaxGUI driver does
End Rem
Type TMaxGUIDriver Abstract
	Method MakeGadget:TGadget(kind:Int, text:String, x:Int, y:Int, width:Int, height:Int, group:TGadget) Abstract
	Method Activate(gadget:TGadget) Abstract
	Method WaitEvent:Int() Abstract
End Type

Global maxgui_driver:TMaxGUIDriver

Global lastEvent:Int
Global lastSource:Object

Rem
bbdoc: Create a window
End Rem
Function CreateWindow:TGadget(title:String, x:Int, y:Int, width:Int, height:Int, group:TGadget = Null, style:Int = WINDOW_DEFAULT)
	Return maxgui_driver.MakeGadget(1, title, x, y, width, height, group)
End Function

Rem
bbdoc: Create a push button
End Rem
Function CreateButton:TGadget(label:String, x:Int, y:Int, width:Int, height:Int, group:TGadget)
	Return maxgui_driver.MakeGadget(2, label, x, y, width, height, group)
End Function

Function CreateLabel:TGadget(name:String, x:Int, y:Int, width:Int, height:Int, group:TGadget)
	Return maxgui_driver.MakeGadget(3, name, x, y, width, height, group)
End Function

Function CreateTextField:TGadget(x:Int, y:Int, width:Int, height:Int, group:TGadget)
	Return maxgui_driver.MakeGadget(4, "", x, y, width, height, group)
End Function

Function SetGadgetText(gadget:TGadget, text:String)
	gadget.text = text
End Function

Function GadgetText:String(gadget:TGadget)
	Return gadget.text
End Function

Function EnableGadget(gadget:TGadget)
	gadget.enabled = True
End Function

Function DisableGadget(gadget:TGadget)
	gadget.enabled = False
End Function

Rem
bbdoc: Show a picture on a button or a panel
End Rem
Function SetGadgetPixmap(gadget:TGadget, pixmap:TPixmap)
	gadget.handle = Null
End Function

Rem
bbdoc: Bring a window to the front
End Rem
Function ActivateWindow(window:TGadget)
	maxgui_driver.Activate(window)
End Function

Rem
bbdoc: The system's own handle of a gadget
about: With QUERY_HWND: the window handle on Windows.
End Rem
Function QueryGadget:Byte Ptr(gadget:TGadget, queryid:Int)
	Return gadget.handle
End Function

Rem
bbdoc: Create a gadget that shows a web page
about: On Linux the page is drawn by the MaxGUI.GTK3WebKit2GTK plug-in, which
registers itself when the program starts.
End Rem
Function CreateHTMLView:TGadget(x:Int, y:Int, width:Int, height:Int, group:TGadget, style:Int = 0)
	Return maxgui_driver.MakeGadget(7, "", x, y, width, height, group)
End Function

Rem
bbdoc: Show the page at @url in an HTML view
End Rem
Function HtmlViewGo(view:TGadget, url:String)
	view.text = url
End Function

Function FreeGadget(gadget:TGadget)
	gadget.parent = Null
End Function

Rem
bbdoc: Wait for the next event
returns: The event's id, which EventID gives again
End Rem
Function WaitEvent:Int()
	lastEvent = maxgui_driver.WaitEvent()
	Return lastEvent
End Function

Function EventID:Int()
	Return lastEvent
End Function

Global lastData:Int

Rem
bbdoc: The event's data: the key code of a key event
End Rem
Function EventData:Int()
	Return lastData
End Function

Function EventSource:Object()
	Return lastSource
End Function
