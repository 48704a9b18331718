SuperStrict

Rem
bbdoc: GUI/Win32 MaxGUI
about: Windows, buttons, menus and other gadgets on Windows.
End Rem
Module BRL.Win32MaxGUI

ModuleInfo "Version: 1.30"
ModuleInfo "Author: Veltrane example installation"
ModuleInfo "Modserver: BRL"

Import BRL.LinkedList
Import BRL.Pixmap

Const WINDOW_TITLEBAR:Int=1
Const WINDOW_RESIZABLE:Int=2
Const WINDOW_MENU:Int=4
Const WINDOW_STATUS:Int=8
Const WINDOW_DEFAULT:Int=WINDOW_TITLEBAR|WINDOW_RESIZABLE|WINDOW_MENU|WINDOW_STATUS

Const EVENT_WINDOWCLOSE:Int=$4001
Const EVENT_GADGETACTION:Int=$2001
Const EVENT_MENUACTION:Int=$1001

Rem
bbdoc: A gadget: a window or anything placed in one
End Rem
Type TGadget
	Field x:Int,y:Int,width:Int,height:Int
	Field text:String
	Field parent:TGadget
	Field kids:TList=New TList
	Method SetText( t:String )
		text=t
	End Method
	Method Free()
		kids=Null
	End Method
End Type

Global lastEvent:Int

Rem
bbdoc: Create a window
End Rem
Function CreateWindow:TGadget( title:String,x:Int,y:Int,width:Int,height:Int,group:TGadget=Null,style:Int=WINDOW_DEFAULT )
	Return NewGadget( title,x,y,width,height,group )
End Function

Function CreateButton:TGadget( label:String,x:Int,y:Int,width:Int,height:Int,group:TGadget )
	Return NewGadget( label,x,y,width,height,group )
End Function

Function CreateLabel:TGadget( name:String,x:Int,y:Int,width:Int,height:Int,group:TGadget )
	Return NewGadget( name,x,y,width,height,group )
End Function

Function CreateMenu:TGadget( text:String,tag:Int,parent:TGadget )
	Return NewGadget( text,0,0,0,0,parent )
End Function

Function UpdateWindowMenu( window:TGadget )
End Function

Function SetGadgetText( gadget:TGadget,text:String )
	gadget.SetText text
End Function

Function WaitEvent:Int()
	Return lastEvent
End Function

Function EventID:Int()
	Return lastEvent
End Function

Function EventSource:Object()
	Return Null
End Function

Function FreeGadget( gadget:TGadget )
	gadget.Free
End Function

Function Notify( text:String,serious:Int=False )
	lastEvent=0
End Function

Private

Function NewGadget:TGadget( text:String,x:Int,y:Int,width:Int,height:Int,group:TGadget )
	Local g:TGadget=New TGadget
	g.text=text
	g.x=x
	g.y=y
	g.width=width
	g.height=height
	g.parent=group
	If group ListAddLast group.kids,g
	Return g
End Function
