SuperStrict

Rem
bbdoc: Graphics/Graphics
about: Opens and closes graphics contexts and shows what was drawn.
End Rem
Module BRL.Graphics

ModuleInfo "Version: 1.08"
ModuleInfo "Author: Veltrane example installation"

Import BRL.PolledInput
Import BRL.LinkedList

Rem
bbdoc: A display that can be drawn to
End Rem
Type TGraphics
	Field width:Int,height:Int,depth:Int,hertz:Int
	Method Flip( sync:Int )
	End Method
	Method Close()
	End Method
End Type

Type TGraphicsDriver
	Method CreateGraphics:TGraphics( width:Int,height:Int,depth:Int,hertz:Int ) Abstract
End Type

Global currentDriver:TGraphicsDriver
Global currentGraphics:TGraphics

Rem
bbdoc: Choose the driver that later Graphics calls use
End Rem
Function SetGraphicsDriver( driver:TGraphicsDriver )
	currentDriver=driver
End Function

Function GetGraphicsDriver:TGraphicsDriver()
	Return currentDriver
End Function

Rem
bbdoc: Open a window, or the full screen when @depth is not 0
End Rem
Function Graphics:TGraphics( width:Int,height:Int,depth:Int=0,hertz:Int=60 )
	EndGraphics
	If Not currentDriver RuntimeError "No graphics driver set"
	currentGraphics=currentDriver.CreateGraphics( width,height,depth,hertz )
	Return currentGraphics
End Function

Function EndGraphics()
	If currentGraphics currentGraphics.Close
	currentGraphics=Null
End Function

Rem
bbdoc: Show the back buffer
about: With @sync set to -1 the refresh rate given to Graphics is kept.
End Rem
Function Flip( sync:Int=-1 )
	If currentGraphics currentGraphics.Flip sync
End Function

Function GraphicsWidth:Int()
	If currentGraphics Return currentGraphics.width
End Function

Function GraphicsHeight:Int()
	If currentGraphics Return currentGraphics.height
End Function

Function GraphicsModeExists:Int( width:Int,height:Int,depth:Int=0,hertz:Int=0 )
	Return True
End Function
