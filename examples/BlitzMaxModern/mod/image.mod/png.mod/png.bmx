SuperStrict

Rem
bbdoc: Graphics/PNG loader
about: Reads PNG files for LoadPixmap. Nothing names it: it adds its loader
when the program starts.
End Rem
Module Image.PNG

ModuleInfo "Version: 1.05"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Pixmap

Type TPNGPixmapLoader Extends TPixmapLoader
	Method LoadPixmap:TPixmap(url:Object)
		Return Null
	End Method
End Type

Local loader:TPixmapLoader = New TPNGPixmapLoader
loader.nextLoader = pixmapLoaders
pixmapLoaders = loader
