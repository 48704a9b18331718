SuperStrict

Rem
bbdoc: Graphics/PNG loader
about: Adds the PNG format to LoadPixmap, LoadImage and friends.
End Rem
Module BRL.PNGLoader

ModuleInfo "Version: 1.05"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Pixmap
Import Pub.ZLib

Type TPixmapLoaderPNG Extends TPixmapLoader
	Method LoadPixmap:TPixmap( stream:TStream )
		Return LoadPixmapPNG( stream )
	End Method
End Type

Rem
bbdoc: Load a pixmap stored in the PNG format
End Rem
Function LoadPixmapPNG:TPixmap( url:Object )
	Local stream:TStream=ReadStream( url )
	If Not stream Return Null
	Local pixmap:TPixmap=DecodePNG( stream )
	CloseStream stream
	Return pixmap
End Function

Rem
bbdoc: Save a pixmap in the PNG format
End Rem
Function SavePixmapPNG:Int( pixmap:TPixmap,url:Object,compression:Int=5 )
	Local stream:TStream=WriteStream( url )
	If Not stream Return False
	CloseStream stream
	Return True
End Function

Private

Function DecodePNG:TPixmap( stream:TStream )
	Return CreatePixmap( 1,1 )
End Function
