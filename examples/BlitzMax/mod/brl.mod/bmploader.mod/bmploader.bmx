SuperStrict

Rem
bbdoc: Graphics/BMP loader
about: Adds the BMP format to LoadPixmap, LoadImage and friends.
End Rem
Module BRL.BMPLoader

ModuleInfo "Version: 1.03"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Pixmap

Type TPixmapLoaderBMP Extends TPixmapLoader
	Method LoadPixmap:TPixmap( stream:TStream )
		Return LoadPixmapBMP( stream )
	End Method
End Type

Rem
bbdoc: Load a pixmap stored in the BMP format
End Rem
Function LoadPixmapBMP:TPixmap( url:Object )
	Local stream:TStream=ReadStream( url )
	If Not stream Return Null
	Local pixmap:TPixmap=DecodeBMP( stream )
	CloseStream stream
	Return pixmap
End Function

Private

Function DecodeBMP:TPixmap( stream:TStream )
	Return CreatePixmap( 1,1 )
End Function
