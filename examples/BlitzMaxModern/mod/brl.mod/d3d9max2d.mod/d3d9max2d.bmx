SuperStrict

Rem
bbdoc: Graphics/DirectX 9 Max2D
about: The Max2D driver that draws with DirectX 9. It exists on Windows only;
elsewhere the module is empty.
End Rem
Module BRL.D3D9Max2D

ModuleInfo "Version: 1.03"
ModuleInfo "Author: Veltrane example installation"

?win32
Import BRL.Max2D
Import BRL.SystemDefault

Type TD3D9Max2DDriver Extends TGraphicsDriver
	Method CreateGraphics:TGraphics(width:Int, height:Int, depth:Int, hertz:Int)
		Local g:TGraphics = New TGraphics
		g.width = width
		g.height = height
		Return g
	End Method
End Type

Global d3d9Driver:TD3D9Max2DDriver

Rem
bbdoc: The DirectX 9 Max2D driver
End Rem
Function D3D9Max2DDriver:TD3D9Max2DDriver()
	If Not d3d9Driver Then d3d9Driver = New TD3D9Max2DDriver
	Return d3d9Driver
End Function
?
