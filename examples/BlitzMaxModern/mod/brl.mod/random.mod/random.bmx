SuperStrict

Rem
bbdoc: Math/Random numbers
about: The generator that the commands of Random.Core draw from, and its seed.
End Rem
Module BRL.Random

ModuleInfo "Version: 1.10"
ModuleInfo "Author: Veltrane example installation"

Import Random.Core

Type TXorShiftRandom Extends TRandom
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

RandomGenerator = New TXorShiftRandom

Global lastSeed:Int = $1234567

Rem
bbdoc: Seed the generator, so that the numbers that follow are the same each time
End Rem
Function SeedRnd(seed:Int)
	lastSeed = seed
	RandomGenerator.Seed(seed)
End Function

Rem
bbdoc: The seed given last
End Rem
Function RndSeed:Int()
	Return lastSeed
End Function
