SuperStrict

Rem
bbdoc: Graphics/OpenGL graphics
about: Graphics contexts that are drawn to with plain OpenGL commands.
End Rem
Module BRL.GLGraphics

ModuleInfo "Version: 1.04"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Graphics
Import Pub.OpenGL

Type TGLGraphics Extends TGraphics
	Method Flip( sync:Int )
		glFlush
	End Method
End Type

Type TGLGraphicsDriver Extends TGraphicsDriver
	Method CreateGraphics:TGraphics( width:Int,height:Int,depth:Int,hertz:Int )
		Local g:TGLGraphics=New TGLGraphics
		g.width=width
		g.height=height
		g.depth=depth
		g.hertz=hertz
		Return g
	End Method
End Type

Global glDriver:TGLGraphicsDriver=New TGLGraphicsDriver

Rem
bbdoc: The OpenGL graphics driver
End Rem
Function GLGraphicsDriver:TGLGraphicsDriver()
	Return glDriver
End Function

Rem
bbdoc: Open an OpenGL graphics context directly
End Rem
Function GLGraphics:TGraphics( width:Int,height:Int,depth:Int=0,hertz:Int=60 )
	SetGraphicsDriver GLGraphicsDriver()
	Return Graphics( width,height,depth,hertz )
End Function

Function GLSetupViewport( width:Int,height:Int )
	glViewport 0,0,width,height
End Function
