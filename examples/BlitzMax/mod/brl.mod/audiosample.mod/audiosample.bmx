SuperStrict

Rem
bbdoc: Audio/Audio samples
about: Sound data in memory, before it is turned into a sound.
End Rem
Module BRL.AudioSample

ModuleInfo "Version: 1.04"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Stream

Const SF_MONO8:Int=1
Const SF_MONO16LE:Int=2
Const SF_STEREO16LE:Int=6

Rem
bbdoc: A block of sample data with its length, rate and format
End Rem
Type TAudioSample
	Field samples:Byte[]
	Field length:Int,hertz:Int,format:Int
	Function Create:TAudioSample( length:Int,hertz:Int,format:Int )
		Local t:TAudioSample=New TAudioSample
		t.length=length
		t.hertz=hertz
		t.format=format
		t.samples=New Byte[length*2]
		Return t
	End Function
End Type

Type TAudioSampleLoader
	Method LoadAudioSample:TAudioSample( stream:TStream ) Abstract
End Type

Global sampleLoaders:TAudioSampleLoader[]

Function CreateAudioSample:TAudioSample( length:Int,hertz:Int,format:Int )
	Return TAudioSample.Create( length,hertz,format )
End Function

Rem
bbdoc: Load an audio sample with the first loader that knows its format
End Rem
Function LoadAudioSample:TAudioSample( url:Object )
	Local stream:TStream=ReadStream( url )
	If Not stream Return Null
	For Local loader:TAudioSampleLoader=EachIn sampleLoaders
		Local sample:TAudioSample=loader.LoadAudioSample( stream )
		If sample Return sample
	Next
	Return Null
End Function
