SuperStrict

Rem
bbdoc: Random/Core
about: Random numbers drawn from the generator that is in use. BRL.Random
puts a generator in place and seeds it.
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

Rem
bbdoc: A random floating point number from @minValue up to @maxValue
End Rem
Function Rnd:Double(minValue:Double = 1, maxValue:Double = 0)
	If maxValue < minValue Then Return Rnd(maxValue, minValue)
	Return minValue + (maxValue - minValue) * RandomGenerator.NextDouble()
End Function

Rem
bbdoc: A random whole number from @minValue to @maxValue, both included
End Rem
Function Rand:Int(minValue:Int, maxValue:Int = 1)
	If maxValue < minValue Then Return Rand(maxValue, minValue)
	Return minValue + Int((maxValue - minValue + 1) * RandomGenerator.NextDouble())
End Function
