SuperStrict

Rem
bbdoc: System/Standard input and output
End Rem
Module BRL.StandardIO

ModuleInfo "Version: 1.05"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Stream

Global StandardIOStream:TStream

Rem
bbdoc: Write a line to the console
End Rem
Function Print( str:String="" )
	StandardIOStream.WriteLine str
End Function

Rem
bbdoc: Read a line from the console
about: @prompt is written first, without a line break.
End Rem
Function Input:String( prompt:String=">" )
	StandardIOStream.WriteString prompt
	Return StandardIOStream.ReadLine()
End Function
