' The settings window of the first version, for the classic BlitzMax only.
SuperStrict

Global settings:TGadget = CreateWindow("Star Catcher", 100, 100, 240, 120)
CreateButton("Start", 20, 40, 80, 24, settings)
WaitEvent()
