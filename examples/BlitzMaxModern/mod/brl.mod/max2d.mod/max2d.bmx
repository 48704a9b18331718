SuperStrict

Rem
bbdoc: Graphics/Max2D
about: Two-dimensional drawing: shapes, images and text.
End Rem
Module BRL.Max2D

ModuleInfo "Version: 1.22"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Graphics

Rem
bbdoc: A colour with 8 bits for each of red, green, blue and alpha
End Rem
Struct SColor8
	Field r:Byte, g:Byte, b:Byte, a:Byte

	Function White:SColor8()
		Return New SColor8(255, 255, 255)
	End Function

	Method New(r:Int, g:Int, b:Int, a:Int = 255)
		Self.r = r
		Self.g = g
		Self.b = b
		Self.a = a
	End Method
End Struct

Rem
bbdoc: An image that can be drawn
End Rem
Type TImage
	Field width:Int, height:Int
End Type

Global drawColor:SColor8 = SColor8.White()

Rem
bbdoc: Clear the graphics buffer
End Rem
Function Cls()
End Function

Rem
bbdoc: Set the colour that later drawing uses
End Rem
Function SetColor(red:Int, green:Int, blue:Int)
	drawColor = New SColor8(red, green, blue)
End Function

Function DrawRect(x:Float, y:Float, width:Float, height:Float)
End Function

Function DrawText(t:String, x:Float, y:Float)
End Function

Rem
bbdoc: Load an image from a file
End Rem
Function LoadImage:TImage(url:Object)
	Return New TImage
End Function

Function DrawImage(image:TImage, x:Float, y:Float)
End Function
