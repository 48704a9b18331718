SuperStrict

Rem
bbdoc: Graphics/JPEG loader
about: Reads JPEG files for LoadPixmap. Nothing names it: it adds its loader
when the program starts.
End Rem
Module Image.JPG

ModuleInfo "Version: 1.03"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Pixmap

Type TJPGPixmapLoader Extends TPixmapLoader
	Method LoadPixmap:TPixmap(url:Object)
		Return Null
	End Method
End Type

Local loader:TPixmapLoader = New TJPGPixmapLoader
loader.nextLoader = pixmapLoaders
pixmapLoaders = loader
