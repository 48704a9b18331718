SuperStrict

Rem
bbdoc: Graphics/SDL Renderer Max2D
about: The Max2D driver that draws through the SDL renderer.
End Rem
Module SDL.SDLRenderMax2D

ModuleInfo "Version: 1.02"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Max2D
Import SDL.SDLSystem

Type TSDLRenderMax2DDriver Extends TGraphicsDriver
	Method CreateGraphics:TGraphics(width:Int, height:Int, depth:Int, hertz:Int)
		Local g:TGraphics = New TGraphics
		g.width = width
		g.height = height
		Return g
	End Method
End Type

Global sdlRenderDriver:TSDLRenderMax2DDriver = New TSDLRenderMax2DDriver

Rem
bbdoc: The SDL renderer Max2D driver
about: Pass it to SetGraphicsDriver before Graphics is called.
End Rem
Function SDLRenderMax2DDriver:TSDLRenderMax2DDriver()
	Return sdlRenderDriver
End Function
