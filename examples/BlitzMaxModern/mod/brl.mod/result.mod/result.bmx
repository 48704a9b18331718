SuperStrict

Rem
bbdoc: Data/Result
about: Values that may be missing, and values that come with the error that kept
them from being made.
End Rem
Module BRL.Result

ModuleInfo "Version: 1.00"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Blitz

Rem
bbdoc: Either a value or an error
about: Make one with Result<T, E>.Ok(value) or Result<T, E>.Err(error).
End Rem
Struct Result<T, E>
	Field _ok:Int
	Field _value:T
	Field _error:E

	Rem
	bbdoc: A result that holds a value
	End Rem
	Function Ok:Result<T, E>(value:T)
		Local r:Result<T, E>
		r._ok = True
		r._value = value
		Return r
	End Function

	Rem
	bbdoc: A result that holds an error
	End Rem
	Function Err:Result<T, E>(error:E)
		Local r:Result<T, E>
		r._error = error
		Return r
	End Function

	Method IsOk:Int()
		Return _ok
	End Method

	Method Value:T()
		If Not _ok Then RuntimeError "The result holds an error, not a value"
		Return _value
	End Method

	Method Error:E()
		Return _error
	End Method
End Struct

Rem
bbdoc: A value that may be missing
End Rem
Struct Optional<T>
	Field _present:Int
	Field _value:T

	Function Of:Optional<T>(value:T)
		Local o:Optional<T>
		o._present = True
		o._value = value
		Return o
	End Function

	Function Empty:Optional<T>()
		Local o:Optional<T>
		Return o
	End Function

	Method IsPresent:Int()
		Return _present
	End Method

	Method Get:T()
		If Not _present Then RuntimeError "The value is missing"
		Return _value
	End Method
EndStruct
