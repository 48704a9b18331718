SuperStrict

Rem
bbdoc: Streams/Text streams
about: Whole text files read and written in one call.
End Rem
Module BRL.TextStream

ModuleInfo "Version: 1.06"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Blitz

Rem
bbdoc: A text file open for reading or writing
End Rem
Type TTextStream
	Field _url:String
	Field _text:String
End Type

Rem
bbdoc: The text of a file
returns: The text, or an empty string when the file cannot be read
End Rem
Function LoadText:String(url:Object)
	Return bbLoadText(url.ToString())
End Function

Rem
bbdoc: Write a text to a file, replacing what it held
returns: True when the text was written
End Rem
Function SaveText:Int(text:String, url:Object)
	Return bbSaveText(text, url.ToString())
End Function

Private

Extern "C"
Function bbLoadText:String(path:String)
Function bbSaveText:Int(text:String, path:String)
End Extern
