SuperStrict

Rem
bbdoc: Audio/Ogg Vorbis loader
about: Adds the Ogg Vorbis format to LoadAudioSample and LoadSound.
End Rem
Module BRL.OGGLoader

ModuleInfo "Version: 1.02"
ModuleInfo "Author: Veltrane example installation"

Import BRL.AudioSample

Type TAudioSampleLoaderOGG Extends TAudioSampleLoader
	Method LoadAudioSample:TAudioSample( stream:TStream )
		Return ReadOGG( stream )
	End Method
End Type

Private

Function ReadOGG:TAudioSample( stream:TStream )
	Return CreateAudioSample( 0,44100,SF_STEREO16LE )
End Function
