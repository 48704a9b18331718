' Break Timer: counts down a spell of work, then says it is time for a break.
SuperStrict

Import "util.bmx"

Global window:TGadget = CreateWindow("Break Timer", 200, 200, 520, 160, Null, WINDOW_TITLEBAR | WINDOW_CLIENTCOORDS)
Global ticker:TTimer, tenthsLeft:Int

Include "inc/panel.bmx"

Global ui:TPanel = TPanel.Create(window)
InitTips()

Repeat
	Select WaitEvent()
		Case EVENT_GADGETACTION
			If EventSource() = ui.start Then StartWork()
			If EventSource() = ui.stop And ConfirmStop() Then StopWork("Stopped.")
		Case EVENT_TIMERTICK
			tenthsLeft :- 1
			SetGadgetText(ui.clock, (tenthsLeft + 599) / 600 + " min left")
			If tenthsLeft <= 0 Then TakeBreak()
		Case EVENT_KEYDOWN
			' Escape closes the window, as its close box does.
			If EventData() = KEY_ESCAPE Then End
		Case EVENT_WINDOWCLOSE
			End
	End Select
Forever

Function ParseMinutes:Result<Int, String>(text:String)
	Local minutes:Int = text.Trim().ToInt()
	If minutes < 1 Or minutes > 180 Then Return Result<Int, String>.Err("Type 1 to 180 minutes.")
	Return Result<Int, String>.Ok(minutes)
End Function

Function StartWork()
	Local parsed:Result<Int, String> = ParseMinutes(GadgetText(ui.minutes))
	If Not parsed.IsOk() Then
		Notify(parsed.Error())
		Return
	EndIf
	tenthsLeft = parsed.Value() * 600
	ticker = CreateTimer(10)
	ui.Running(True)
End Function

Function StopWork(message:String)
	StopTimer(ticker)
	ui.Running(False)
	SetGadgetText(ui.tip, message)
End Function

Function TakeBreak()
	StopWork(RandomTip())
	ActivateWindow(window)
?Win32
	FlashWindow(QueryGadget(window, QUERY_HWND), True)
?
End Function
