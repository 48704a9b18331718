SuperStrict

Rem
bbdoc: Random/Core
about: Random numbers drawn from the generator in use. The module holds no
generator: BRL.Random or another generator module puts one in place when the
program starts, and without one the first number stops the program.
End Rem
Module Random.Core

ModuleInfo "Version: 1.00"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Blitz

Rem
bbdoc: A random number generator
End Rem
Type TRandom Abstract
	Method Seed(value:Int) Abstract
	Method NextDouble:Double() Abstract
End Type

Global RandomGenerator:TRandom

Private
Function Generator:TRandom()
	If Not RandomGenerator Then RuntimeError("No Random installed")
	Return RandomGenerator
End Function
Public

Rem
bbdoc: Seed the generator, so that the numbers that follow are the same each time
End Rem
Function SeedRnd(seed:Int)
	Generator().Seed(seed)
End Function

Rem
bbdoc: A random floating point number from @minValue up to @maxValue
End Rem
Function Rnd:Double(minValue:Double = 1, maxValue:Double = 0)
	If maxValue < minValue Then Return Rnd(maxValue, minValue)
	Return minValue + (maxValue - minValue) * Generator().NextDouble()
End Function

Rem
bbdoc: A random whole number from @minValue to @maxValue, both included
End Rem
Function Rand:Int(minValue:Int, maxValue:Int = 1)
	If maxValue < minValue Then Return Rand(maxValue, minValue)
	Return minValue + Int((maxValue - minValue + 1) * Generator().NextDouble())
End Function
