SuperStrict

Rem
bbdoc: Fonts drawn from images
about: This file is imported as "imagefont.bmx" but is named ImageFont.bmx on disk.
End Rem

Type TImageFont
	Field size:Int
	Field name:String
	Method CharWidth:Int( char:Int )
		Return size/2+1
	End Method
End Type

Global defaultFont:TImageFont=New TImageFont
Global activeFont:TImageFont

Function LoadImageFont:TImageFont( url:Object,size:Int )
	Local font:TImageFont=New TImageFont
	font.size=size
	font.name=String(url)
	Return font
End Function

Function SetImageFont( font:TImageFont )
	activeFont=font
End Function

Function GetImageFont:TImageFont()
	Return CurrentImageFont()
End Function

Function TextWidth:Int( text:String )
	Return Len(text)*CurrentImageFont().CharWidth(32)
End Function

Function TextHeight:Int( text:String )
	Return CurrentImageFont().size
End Function

Private

Function CurrentImageFont:TImageFont()
	If activeFont Return activeFont
	Return defaultFont
End Function

Function DrawTextWith( font:TImageFont,text:String,x:Float,y:Float )
End Function
