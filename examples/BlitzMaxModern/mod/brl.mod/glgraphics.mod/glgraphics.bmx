SuperStrict

Rem
bbdoc: Graphics/OpenGL graphics
about: Graphics contexts that are drawn to with OpenGL commands.
End Rem
Module BRL.GLGraphics

ModuleInfo "Version: 1.05"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Graphics
Import BRL.SystemDefault

Type TGLGraphicsDriver Extends TGraphicsDriver
	Method CreateGraphics:TGraphics(width:Int, height:Int, depth:Int, hertz:Int)
		Local g:TGraphics = New TGraphics
		g.width = width
		g.height = height
		Return g
	End Method
End Type

Global glDriver:TGLGraphicsDriver = New TGLGraphicsDriver

Rem
bbdoc: The OpenGL graphics driver
End Rem
Function GLGraphicsDriver:TGLGraphicsDriver()
	Return glDriver
End Function
