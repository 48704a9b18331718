SuperStrict

Rem
bbdoc: Audio/FreeAudio audio
about: The audio driver that plays sounds through FreeAudio.
End Rem
Module BRL.FreeAudioAudio

ModuleInfo "Version: 1.12"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Audio

Type TFreeAudioAudioDriver Extends TAudioDriver
	Field device:Int
	Method Name:String()
		Return "FreeAudio"
	End Method
End Type

Global freeAudioDriver:TFreeAudioAudioDriver=New TFreeAudioAudioDriver

Rem
bbdoc: The FreeAudio driver
End Rem
Function FreeAudioAudioDriver:TFreeAudioAudioDriver()
	Return freeAudioDriver
End Function
