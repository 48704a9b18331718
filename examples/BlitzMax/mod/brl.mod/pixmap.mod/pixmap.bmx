SuperStrict

Rem
bbdoc: Graphics/Pixmaps
about: A pixmap is a rectangle of pixels in memory.
End Rem
Module BRL.Pixmap

ModuleInfo "Version: 1.08"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Stream

Const PF_RGB888:Int=3
Const PF_RGBA8888:Int=4

Rem
bbdoc: A block of pixels
End Rem
Type TPixmap
	Field width:Int,height:Int,format:Int
	Field pixels:Byte[]
	Method Copy:TPixmap()
		Local t:TPixmap=New TPixmap
		t.width=width
		t.height=height
		t.format=format
		t.pixels=pixels[..]
		Return t
	End Method
	Function Create:TPixmap( width:Int,height:Int,format:Int )
		Local t:TPixmap=New TPixmap
		t.width=width
		t.height=height
		t.format=format
		t.pixels=New Byte[width*height*4]
		Return t
	End Function
End Type

Type TPixmapLoader
	Method LoadPixmap:TPixmap( stream:TStream ) Abstract
End Type

Global pixmapLoaders:TPixmapLoader[]

Rem
bbdoc: Create a pixmap
End Rem
Function CreatePixmap:TPixmap( width:Int,height:Int,format:Int=PF_RGBA8888 )
	Return TPixmap.Create( width,height,format )
End Function

Rem
bbdoc: Load a pixmap from a file or stream
about: Every installed pixmap loader is tried in turn.
End Rem
Function LoadPixmap:TPixmap( url:Object )
	Local stream:TStream=ReadStream( url )
	If Not stream Return Null
	For Local loader:TPixmapLoader=EachIn pixmapLoaders
		Local pixmap:TPixmap=loader.LoadPixmap( stream )
		If pixmap Return pixmap
	Next
	Return Null
End Function

Function CopyPixmap:TPixmap( pixmap:TPixmap )
	Return pixmap.Copy()
End Function

Function PixmapWidth:Int( pixmap:TPixmap )
	Return pixmap.width
End Function

Function PixmapHeight:Int( pixmap:TPixmap )
	Return pixmap.height
End Function

Function ReadPixel:Int( pixmap:TPixmap,x:Int,y:Int )
	Local p:Int=(y*pixmap.width+x)*4
	Return pixmap.pixels[p] | pixmap.pixels[p+1] Shl 8 | pixmap.pixels[p+2] Shl 16 | pixmap.pixels[p+3] Shl 24
End Function

Function WritePixel( pixmap:TPixmap,x:Int,y:Int,argb:Int )
	Local p:Int=(y*pixmap.width+x)*4
	pixmap.pixels[p]=argb
End Function

Private

Function AddPixmapLoader( loader:TPixmapLoader )
	pixmapLoaders:+[loader]
End Function
