SuperStrict

Rem
bbdoc: Audio/WAV loader
about: Adds the WAV format to LoadAudioSample and LoadSound.
End Rem
Module BRL.WAVLoader

ModuleInfo "Version: 1.02"
ModuleInfo "Author: Veltrane example installation"

Import BRL.AudioSample

Type TAudioSampleLoaderWAV Extends TAudioSampleLoader
	Method LoadAudioSample:TAudioSample( stream:TStream )
		Return ReadWAV( stream )
	End Method
End Type

Private

Function ReadWAV:TAudioSample( stream:TStream )
	Return CreateAudioSample( 0,44100,SF_STEREO16LE )
End Function
