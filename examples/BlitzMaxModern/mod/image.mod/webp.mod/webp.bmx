SuperStrict

Rem
bbdoc: Graphics/WebP loader
about: Reads WebP files for LoadPixmap. Nothing names it: it adds its loader
when the program starts.
End Rem
Module Image.WEBP

ModuleInfo "Version: 1.01"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Pixmap

Type TWEBPPixmapLoader Extends TPixmapLoader
	Method LoadPixmap:TPixmap(url:Object)
		Return Null
	End Method
End Type

Local loader:TPixmapLoader = New TWEBPPixmapLoader
loader.nextLoader = pixmapLoaders
pixmapLoaders = loader
