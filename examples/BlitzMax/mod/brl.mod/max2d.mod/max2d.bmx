SuperStrict

Rem
bbdoc: Graphics/Max2D
about: Two-dimensional drawing: images, shapes and text.
End Rem
Module BRL.Max2D

ModuleInfo "Version: 1.20"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Graphics
Import BRL.Pixmap

Import "image.bmx"
Import "imagefont.bmx"

Const SOLIDBLEND:Int=1
Const MASKBLEND:Int=2
Const ALPHABLEND:Int=3
Const LIGHTBLEND:Int=4

Rem
bbdoc: The drawing state that every Max2D command reads
End Rem
Type TMax2DState
	Field red:Int=255,green:Int=255,blue:Int=255
	Field alpha:Float=1
	Field blend:Int=MASKBLEND
	Field clsRed:Int,clsGreen:Int,clsBlue:Int
	Field rotation:Float,scaleX:Float=1,scaleY:Float=1
End Type

Global state:TMax2DState=New TMax2DState

Rem
bbdoc: Clear the graphics buffer with the clear colour
End Rem
Function Cls()
	DriverCls state.clsRed,state.clsGreen,state.clsBlue
End Function

Function SetClsColor( red:Int,green:Int,blue:Int )
	state.clsRed=red
	state.clsGreen=green
	state.clsBlue=blue
End Function

Rem
bbdoc: Set the colour that later drawing uses
End Rem
Function SetColor( red:Int,green:Int,blue:Int )
	state.red=red
	state.green=green
	state.blue=blue
End Function

Function SetAlpha( alpha:Float )
	state.alpha=alpha
End Function

Function SetBlend( blend:Int )
	state.blend=blend
End Function

Function SetRotation( rotation:Float )
	state.rotation=rotation
End Function

Function SetScale( scaleX:Float,scaleY:Float )
	state.scaleX=scaleX
	state.scaleY=scaleY
End Function

Function DrawRect( x:Float,y:Float,width:Float,height:Float )
	DriverRect x,y,width,height
End Function

Function DrawLine( x:Float,y:Float,x2:Float,y2:Float )
	DriverRect x,y,x2-x,1
End Function

Function DrawOval( x:Float,y:Float,width:Float,height:Float )
	DriverRect x,y,width,height
End Function

Rem
bbdoc: Draw text with the current image font
End Rem
Function DrawText( t:String,x:Float,y:Float )
	DrawTextWith CurrentImageFont(),t,x,y
End Function

Private

Function DriverCls( red:Int,green:Int,blue:Int )
End Function

Function DriverRect( x:Float,y:Float,width:Float,height:Float )
End Function
