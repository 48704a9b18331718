SuperStrict

Rem
bbdoc: GUI/Drivers
about: Imports the MaxGUI driver of the platform the program is built for.
End Rem
Module MaxGUI.Drivers

ModuleInfo "Version: 0.10"
ModuleInfo "Author: Veltrane example installation"

?Win32
Import MaxGUI.Win32MaxGUIEx
?MacOS
Import MaxGUI.CocoaMaxGUI
?Linux
Import MaxGUI.GTK3MaxGUI
?raspberrypi
Import MaxGUI.GTK3MaxGUI
?
