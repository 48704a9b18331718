SuperStrict

Rem
bbdoc: Files/Paths
about: File and folder paths, and the entries of folders.
End Rem
Module BRL.Path

ModuleInfo "Version: 1.00"
ModuleInfo "Author: Veltrane example installation"

Import Collections.Iterator

Rem
bbdoc: What a path names on the disk
End Rem
Enum EFileType:Byte
	Missing
	File
	Folder
End Enum

Rem
bbdoc: A file or folder path, always written with "/" between folders
End Rem
Type TPath
	Field _text:String

	Rem
	bbdoc: The folder the program runs in
	End Rem
	Function Cwd:TPath()
		Return TPath.Of(bbCurrentFolder())
	End Function

	Rem
	bbdoc: The path of a text, with "\" taken as "/"
	End Rem
	Function Of:TPath(text:String)
		Local path:TPath = New TPath
		path._text = text.Replace("\", "/")
		Return path
	End Function

	Method Child:TPath(name:String)
		Return TPath.Of(_text + "/" + name)
	End Method

	Method Kind:EFileType()
		Return EFileType(bbFileType(_text))
	End Method

	Method ToString:String() Override
		Return _text
	End Method
End Type

Rem
bbdoc: Walks the entries of a folder
End Rem
Type TPathIterator Implements IIterator<TPath>
	Field _folder:TPath
	Field _names:String[]
	Field _at:Int = -1

	Method Current:TPath()
		Return _folder.Child(_names[_at])
	End Method

	Method MoveNext:Int()
		_at :+ 1
		Return _at < _names.Length
	End Method
End Type

Rem
bbdoc: The entries of a folder, one after the other
End Rem
Function ReadFolder:TPathIterator(folder:TPath)
	Local it:TPathIterator = New TPathIterator
	it._folder = folder
	it._names = bbFolderNames(folder.ToString())
	Return it
End Function

Private

Extern "C"
Function bbCurrentFolder:String()
Function bbFileType:Int(path:String)
Function bbFolderNames:String[](path:String)
End Extern
