SuperStrict

Rem
bbdoc: Graphics/OpenGL Max2D
about: The Max2D driver that draws with OpenGL.
End Rem
Module BRL.GLMax2D

ModuleInfo "Version: 1.14"
ModuleInfo "Author: Veltrane example installation"

?Not opengles And Not nx And Not raspberrypi And Not haiku
Import BRL.Max2D
Import BRL.GLGraphics
?

Type TGLMax2DDriver Extends TGraphicsDriver
	Method CreateGraphics:TGraphics(width:Int, height:Int, depth:Int, hertz:Int)
		Return GLGraphicsDriver().CreateGraphics(width, height, depth, hertz)
	End Method
End Type

Global glMax2DDriver:TGLMax2DDriver = New TGLMax2DDriver

Rem
bbdoc: The OpenGL Max2D driver
about: Pass it to SetGraphicsDriver before Graphics is called.
End Rem
Function GLMax2DDriver:TGLMax2DDriver()
	Return glMax2DDriver
End Function
