SuperStrict

Rem
bbdoc: Audio/Audio
about: Sounds and the channels they are played on.
End Rem
Module BRL.Audio

ModuleInfo "Version: 1.07"
ModuleInfo "Author: Veltrane example installation"

Import BRL.AudioSample

Rem
bbdoc: A sound ready to be played
End Rem
Type TSound
	Field sample:TAudioSample
	Field loop:Int
	Method Play:TChannel()
		Return New TChannel
	End Method
End Type

Type TChannel
	Field volume:Float=1
	Field paused:Int
	Method SetVolume( volume:Float )
		Self.volume=volume
	End Method
End Type

Type TAudioDriver
	Method Name:String() Abstract
End Type

Global audioDriver:TAudioDriver

Rem
bbdoc: Load a sound from a file or an audio sample
End Rem
Function LoadSound:TSound( url:Object,flags:Int=0 )
	Local sample:TAudioSample=TAudioSample(url)
	If Not sample sample=LoadAudioSample( url )
	If Not sample Return Null
	Local sound:TSound=New TSound
	sound.sample=sample
	sound.loop=flags & 1
	Return sound
End Function

Function PlaySound:TChannel( sound:TSound,channel:TChannel=Null )
	Return sound.Play()
End Function

Rem
bbdoc: Prepare a sound on a paused channel
End Rem
Function CueSound:TChannel( sound:TSound,channel:TChannel=Null )
	Local c:TChannel=sound.Play()
	c.paused=True
	Return c
End Function

Function AllocChannel:TChannel()
	Return New TChannel
End Function

Function StopChannel( channel:TChannel )
	channel.paused=True
End Function

Function ResumeChannel( channel:TChannel )
	channel.paused=False
End Function

Function SetChannelVolume( channel:TChannel,volume:Float )
	channel.SetVolume volume
End Function

Function SetAudioDriver:Int( name:String )
	Return audioDriver<>Null
End Function
