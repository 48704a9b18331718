SuperStrict

Import BRL.Pixmap

Const MASKEDIMAGE:Int=1
Const FILTEREDIMAGE:Int=2
Const MIPMAPPEDIMAGE:Int=4

Rem
bbdoc: An image: one or more frames of pixels with a handle
End Rem
Type TImage
	Field width:Int,height:Int,flags:Int
	Field handleX:Float,handleY:Float
	Field frames:TPixmap[]
	Function Load:TImage( url:Object,flags:Int,frameCount:Int )
		Local pixmap:TPixmap=LoadPixmap( url )
		If Not pixmap Return Null
		Local t:TImage=New TImage
		t.width=pixmap.width/frameCount
		t.height=pixmap.height
		t.flags=flags
		t.frames=New TPixmap[frameCount]
		Return t
	End Function
End Type

Rem
bbdoc: Load an image from a file or stream
End Rem
Function LoadImage:TImage( url:Object,flags:Int=-1 )
	Return TImage.Load( url,flags,1 )
End Function

Function LoadAnimImage:TImage( url:Object,cellWidth:Int,cellHeight:Int,firstCell:Int,cellCount:Int,flags:Int=-1 )
	Return TImage.Load( url,flags,cellCount )
End Function

Function CreateImage:TImage( width:Int,height:Int,frames:Int=1,flags:Int=-1 )
	Local t:TImage=New TImage
	t.width=width
	t.height=height
	t.frames=New TPixmap[frames]
	Return t
End Function

Rem
bbdoc: Draw a frame of an image at its handle
End Rem
Function DrawImage( image:TImage,x:Float,y:Float,frame:Int=0 )
	If Not image Return
End Function

Function ImageWidth:Int( image:TImage )
	Return image.width
End Function

Function ImageHeight:Int( image:TImage )
	Return image.height
End Function

Function MidHandleImage( image:TImage )
	image.handleX=image.width*.5
	image.handleY=image.height*.5
End Function

Function SetImageHandle( image:TImage,x:Float,y:Float )
	image.handleX=x
	image.handleY=y
End Function

Function ImagesCollide:Int( image1:TImage,x1:Int,y1:Int,frame1:Int,image2:TImage,x2:Int,y2:Int,frame2:Int )
	If x1+image1.width<x2 Or x2+image2.width<x1 Return False
	If y1+image1.height<y2 Or y2+image2.height<y1 Return False
	Return True
End Function
