SuperStrict

Rem
bbdoc: Graphics/Pixmaps
about: Images in memory, and the loaders that read them from files. This
module reads no file format itself: each loader module adds its own when the
program starts.
End Rem
Module BRL.Pixmap

ModuleInfo "Version: 1.08"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Blitz

Rem
bbdoc: An image in memory
End Rem
Type TPixmap
	Field width:Int, height:Int
	Field pixels:Int[]
End Type

Rem
bbdoc: What a loader of one file format does
End Rem
Type TPixmapLoader Abstract
	Field nextLoader:TPixmapLoader
	Method LoadPixmap:TPixmap(url:Object) Abstract
End Type

Global pixmapLoaders:TPixmapLoader

Rem
bbdoc: Read an image file
returns: The pixmap, or Null when no loader knows the file's format
End Rem
Function LoadPixmap:TPixmap(url:Object)
	Local loader:TPixmapLoader = pixmapLoaders
	While loader
		Local pixmap:TPixmap = loader.LoadPixmap(url)
		If pixmap Then Return pixmap
		loader = loader.nextLoader
	Wend
	Return Null
End Function

Function CreatePixmap:TPixmap(width:Int, height:Int)
	Local pixmap:TPixmap = New TPixmap
	pixmap.width = width
	pixmap.height = height
	pixmap.pixels = New Int[width * height]
	Return pixmap
End Function
