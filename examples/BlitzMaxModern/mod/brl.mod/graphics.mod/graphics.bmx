SuperStrict

Rem
bbdoc: Graphics/Graphics
about: Opens and closes graphics contexts and shows what was drawn.
End Rem
Module BRL.Graphics

ModuleInfo "Version: 1.09"
ModuleInfo "Author: Veltrane example installation"

Import BRL.System

Rem
bbdoc: A display that can be drawn to
End Rem
Type TGraphics
	Field width:Int, height:Int, depth:Int, hertz:Int
	Method Flip(sync:Int)
	End Method
	Method Close()
	End Method
End Type

Type TGraphicsDriver Abstract
	Method CreateGraphics:TGraphics(width:Int, height:Int, depth:Int, hertz:Int) Abstract
End Type

Global currentDriver:TGraphicsDriver
Global currentGraphics:TGraphics

Rem
bbdoc: Choose the driver that later Graphics calls use
End Rem
Function SetGraphicsDriver(driver:TGraphicsDriver)
	currentDriver = driver
End Function

Function GetGraphicsDriver:TGraphicsDriver()
	Return currentDriver
End Function

Rem
bbdoc: Open a window, or the full screen when @depth is not 0
End Rem
Function Graphics:TGraphics(width:Int, height:Int, depth:Int = 0, hertz:Int = 60)
	EndGraphics()
	If Not currentDriver Then RuntimeError "No graphics driver set"
	currentGraphics = currentDriver.CreateGraphics(width, height, depth, hertz)
	Return currentGraphics
End Function

Function EndGraphics()
	If currentGraphics Then currentGraphics.Close()
	currentGraphics = Null
End Function

Rem
bbdoc: Show what was drawn
End Rem
Function Flip(sync:Int = -1)
	PollSystem()
	If currentGraphics Then currentGraphics.Flip(sync)
End Function

Function GraphicsWidth:Int()
	If currentGraphics Then Return currentGraphics.width
End Function

Function GraphicsHeight:Int()
	If currentGraphics Then Return currentGraphics.height
End Function
