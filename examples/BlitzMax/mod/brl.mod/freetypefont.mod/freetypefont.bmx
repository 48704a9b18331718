SuperStrict

Rem
bbdoc: Graphics/FreeType fonts
about: Lets LoadImageFont load TrueType and other outline fonts.
End Rem
Module BRL.FreeTypeFont

ModuleInfo "Version: 1.06"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Pixmap
Import BRL.Stream

Type TFreeTypeGlyph
	Field pixmap:TPixmap
	Field advance:Float
End Type

Type TFreeTypeFont
	Field size:Int
	Field glyphs:TFreeTypeGlyph[]
	Function Load:TFreeTypeFont( src:String,size:Int )
		Local t:TFreeTypeFont=New TFreeTypeFont
		t.size=size
		t.glyphs=New TFreeTypeGlyph[256]
		Return t
	End Function
End Type

Rem
bbdoc: Load an outline font at the given pixel size
End Rem
Function LoadFreeTypeFont:TFreeTypeFont( src:String,size:Int )
	Return TFreeTypeFont.Load( src,size )
End Function

Private

Function RenderGlyph:TPixmap( font:TFreeTypeFont,char:Int )
	Return CreatePixmap( font.size,font.size )
End Function
