SuperStrict

Rem
bbdoc: Data/Arrays
about: Functions that work on whole arrays.
End Rem
Module BRL.Arrays

ModuleInfo "Version: 1.00"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Blitz

Rem
bbdoc: A new array with each value of an array passed through a function
End Rem
Function Map<T, U>:U[](values:T[], mapper:U(value:T))
	Local made:U[] = New U[values.Length]
	For Local i:Int = 0 Until values.Length
		made[i] = mapper(values[i])
	Next
	Return made
End Function

Rem
bbdoc: The values of an array that a test lets through
End Rem
Function Filter<T>:T[](values:T[], keep:Int(value:T))
	Local kept:T[]
	For Local value:T = EachIn values
		If keep(value) Then kept :+ [value]
	Next
	Return kept
End Function

Rem
bbdoc: How many values of an array pass a test
End Rem
Function Count<T>:Int(values:T[], test:Int(value:T))
	Local found:Int
	For Local value:T = EachIn values
		If test(value) Then found :+ 1
	Next
	Return found
End Function
