SuperStrict

Rem
bbdoc: Compression/ZLib
about: Packing and unpacking of data blocks.
End Rem
Module Pub.ZLib

ModuleInfo "Version: 1.02"
ModuleInfo "Author: Veltrane example installation"

Import "zlib.c"

Extern "C"
Function zcompress:Int( dest:Byte Ptr,destLen:Int Var,source:Byte Ptr,sourceLen:Int )="compress"
Function zuncompress:Int( dest:Byte Ptr,destLen:Int Var,source:Byte Ptr,sourceLen:Int )="uncompress"
End Extern

Rem
bbdoc: Pack a block of bytes
End Rem
Function Compress:Int( dest:Byte Ptr,destLen:Int Var,source:Byte Ptr,sourceLen:Int )
	Return zcompress( dest,destLen,source,sourceLen )
End Function

Function Uncompress:Int( dest:Byte Ptr,destLen:Int Var,source:Byte Ptr,sourceLen:Int )
	Return zuncompress( dest,destLen,source,sourceLen )
End Function
