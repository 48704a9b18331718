' The gadgets of the window: the minutes box, the buttons, the clock, the tip
' and, beside them, the help page.
Type TPanel
	Field minutes:TGadget, start:TGadget, stop:TGadget, clock:TGadget, tip:TGadget
	Field help:TGadget
	Function Create:TPanel(window:TGadget)
		Local panel:TPanel = New TPanel
		CreateLabel("Minutes of work:", 10, 12, 120, 20, window)
		panel.minutes = CreateTextField(140, 10, 50, 22, window)
		SetGadgetText(panel.minutes, "25")
		panel.start = CreateButton("Start", 200, 8, 70, 26, window)
		SetGadgetPixmap(panel.start, LoadPixmap("res/play.webp"))
		panel.stop = CreateButton("Stop", 200, 40, 70, 26, window)
		panel.clock = CreateLabel("Not running", 10, 44, 180, 24, window)
		panel.tip = CreateLabel("", 10, 80, 260, 70, window)
		panel.help = CreateHTMLView(280, 0, 240, 160, window)
		HtmlViewGo(panel.help, "help/index.html")
		panel.Running(False)
		Return panel
	End Function

	Method Running(on:Int)
		If on Then DisableGadget(Self.start) Else EnableGadget(Self.start)
		If on Then EnableGadget(Self.stop) Else DisableGadget(Self.stop)
	End Method
End Type
