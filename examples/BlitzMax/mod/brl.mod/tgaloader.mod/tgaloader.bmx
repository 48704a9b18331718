SuperStrict

Rem
bbdoc: Graphics/TGA loader
about: Adds the TGA format to LoadPixmap, LoadImage and friends.
End Rem
Module BRL.TGALoader

ModuleInfo "Version: 1.02"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Pixmap

Type TPixmapLoaderTGA Extends TPixmapLoader
	Method LoadPixmap:TPixmap( stream:TStream )
		Return LoadPixmapTGA( stream )
	End Method
End Type

Rem
bbdoc: Load a pixmap stored in the TGA format
End Rem
Function LoadPixmapTGA:TPixmap( url:Object )
	Local stream:TStream=ReadStream( url )
	If Not stream Return Null
	Local pixmap:TPixmap=DecodeTGA( stream )
	CloseStream stream
	Return pixmap
End Function

Private

Function DecodeTGA:TPixmap( stream:TStream )
	Return CreatePixmap( 1,1 )
End Function
