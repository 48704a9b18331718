' Helpers of the break timer: the tips, and the question before a stop.
SuperStrict

Global Tips:String[]

' Seeds the random numbers; the tips are the lines of tips.txt, if there is one.
Function InitTips()
	SeedRnd(MilliSecs())
	Tips = ["Stand up and stretch.", "Drink a glass of water.", "Look out of the window for a minute."]
	Local text:String = LoadText(TPath.Cwd().ToString() + "/tips.txt")
	If text Then Tips = text.Trim().Split("~n")
End Function

Function RandomTip:String()
	Return Tips[Rand(0, Tips.Length - 1)]
End Function

' True when the user agrees to stop the timer.
Function ConfirmStop:Int()
	Local ok:Int = Confirm("Stop the timer? The time left is lost.")
	Return ok
End Function
