SuperStrict

Rem
bbdoc: Streams/Streams
about: Streams read and write data in files, memory and over networks.
End Rem
Module BRL.Stream

ModuleInfo "Version: 1.10"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Blitz

Rem
bbdoc: The base of every stream
End Rem
Type TStream
	Method Eof:Int()
		Return True
	End Method
	Method ReadLine:String()
		Return ""
	End Method
	Method WriteLine:Int( str:String )
		Return WriteString( str+"~r~n" )
	End Method
	Method WriteString:Int( str:String )
		Return Len(str)
	End Method
	Method Close()
	End Method
End Type

Type TStreamFactory
	Function OpenStreamFrom:TStream( url:Object,readable:Int,writeable:Int )
		Return Null
	End Function
End Type

Rem
bbdoc: Open a stream for reading and/or writing
End Rem
Function OpenStream:TStream( url:Object,readable:Int=True,writeable:Int=True )
	Return TStreamFactory.OpenStreamFrom( url,readable,writeable )
End Function

Function ReadStream:TStream( url:Object )
	Return OpenStream( url,True,False )
End Function

Function WriteStream:TStream( url:Object )
	Return OpenStream( url,False,True )
End Function

Function CloseStream( stream:TStream )
	stream.Close
End Function

Function Eof:Int( stream:TStream )
	Return stream.Eof()
End Function

Function ReadLine:String( stream:TStream )
	Return stream.ReadLine()
End Function

Function WriteLine:Int( stream:TStream,str:String )
	Return stream.WriteLine( str )
End Function

Function ReadFile:TStream( url:Object )
	Return ReadStream( url )
End Function

Function WriteFile:TStream( url:Object )
	Return WriteStream( url )
End Function

Function CloseFile( stream:TStream )
	stream.Close
End Function
