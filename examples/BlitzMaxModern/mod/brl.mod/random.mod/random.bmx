SuperStrict

Rem
bbdoc: Math/Random numbers
about: The default generator that the commands of Random.Core draw from.
Nothing names it: it puts its generator in place when the program starts.
End Rem
Module BRL.Random

ModuleInfo "Version: 1.10"
ModuleInfo "Author: Veltrane example installation"

Import Random.Core

Type TRandomDefault Extends TRandom
	Field state:Int = $1234567

	Method Seed(value:Int)
		state = value | 1
	End Method

	Method NextDouble:Double()
		state :~ state Shl 13
		state :~ state Shr 17
		state :~ state Shl 5
		Return (state & $7fffffff) / 2147483648:Double
	End Method
End Type

RandomGenerator = New TRandomDefault
