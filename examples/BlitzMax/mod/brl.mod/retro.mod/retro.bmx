SuperStrict

Rem
bbdoc: BASIC/Retro string functions
about: The string commands of the older BASIC dialects.
End Rem
Module BRL.Retro

ModuleInfo "Version: 1.09"
ModuleInfo "Author: Veltrane example installation"

Import BRL.StandardIO

Rem
bbdoc: The leftmost characters of a string
End Rem
Function Left:String( str:String,n:Int )
	If n>Len(str) n=Len(str)
	Return str[..n]
End Function

Rem
bbdoc: The rightmost characters of a string
End Rem
Function Right:String( str:String,n:Int )
	If n>Len(str) n=Len(str)
	Return str[Len(str)-n..]
End Function

Rem
bbdoc: A part of a string
about: @pos counts from 1.
End Rem
Function Mid:String( str:String,pos:Int,size:Int=-1 )
	If pos<1 pos=1
	If size<0 Return str[pos-1..]
	Return str[pos-1..pos-1+size]
End Function

Function Instr:Int( str:String,sub:String,start:Int=1 )
	Return str.Find( sub,start-1 )+1
End Function

Function Upper:String( str:String )
	Return str.ToUpper()
End Function

Function Lower:String( str:String )
	Return str.ToLower()
End Function

Function Trim:String( str:String )
	Return str.Trim()
End Function

Function Hex:String( val:Int )
	Return HexDigits( val,8 )
End Function

Function Bin:String( val:Int )
	Local buf:String
	For Local k:Int=0 Until 32
		buf=Chr( 48+(val & 1) )+buf
		val:Shr 1
	Next
	Return buf
End Function

Rem
bbdoc: A simple random number generator with its own seed
End Rem
Type TRetroRandom
	Field seed:Int
	Method NextValue:Int()
		seed=seed*1103515245+12345
		Return seed
	End Method
	Function Make:TRetroRandom( seed:Int )
		Local r:TRetroRandom=New TRetroRandom
		r.seed=seed
		Return r
	End Function
End Type

Rem
bbdoc: A countdown in frames that starts again when it runs out
Private to the program that makes it: no other module reads or changes it.
End Rem
Type TRetroCountdown
	Field frames:Int
	Method Tick:Int()
		If left<=0 left=frames
		left:-1
		Return left=0
	End Method
	Private
	Field left:Int
End Type

Rem
bbdoc: A countdown that runs out every @frames frames
End Rem
Function CreateCountdown:TRetroCountdown( frames:Int )
	Local t:TRetroCountdown=New TRetroCountdown
	t.frames=frames
	Return t
End Function

Private

Function HexDigits:String( val:Int,count:Int )
	Local buf:String
	For Local k:Int=1 To count
		Local n:Int=(val&15)+48
		If n>57 n:+7
		buf=Chr(n)+buf
		val:Shr 4
	Next
	Return buf
End Function
