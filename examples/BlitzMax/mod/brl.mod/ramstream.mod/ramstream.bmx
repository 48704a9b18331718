SuperStrict

Rem
bbdoc: Streams/RAM streams
about: Streams over a block of memory, such as data stored with Incbin.
End Rem
Module BRL.RamStream

ModuleInfo "Version: 1.01"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Stream

Type TRamStream Extends TStream
	Field buffer:Byte Ptr
	Field size:Int,position:Int
	Method Eof:Int()
		Return position>=size
	End Method
End Type

Rem
bbdoc: Open a stream over a block of memory
End Rem
Function CreateRamStream:TRamStream( buffer:Byte Ptr,size:Int,readable:Int,writeable:Int )
	Local t:TRamStream=New TRamStream
	t.buffer=buffer
	t.size=size
	Return t
End Function
