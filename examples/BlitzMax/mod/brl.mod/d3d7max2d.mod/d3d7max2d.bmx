SuperStrict

Rem
bbdoc: Graphics/DirectX Max2D
about: The Max2D driver that draws with DirectX 7 on Windows.
End Rem
Module BRL.D3D7Max2D

ModuleInfo "Version: 1.14"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Max2D

Type TD3D7Max2DDriver Extends TGraphicsDriver
	Field surfaces:Int
	Method CreateGraphics:TGraphics( width:Int,height:Int,depth:Int,hertz:Int )
		Local g:TGraphics=New TGraphics
		g.width=width
		g.height=height
		Return g
	End Method
End Type

Global d3d7Driver:TD3D7Max2DDriver

Rem
bbdoc: The DirectX 7 Max2D driver
End Rem
Function D3D7Max2DDriver:TD3D7Max2DDriver()
	If Not d3d7Driver d3d7Driver=New TD3D7Max2DDriver
	Return d3d7Driver
End Function
