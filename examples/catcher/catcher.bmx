' Star Catcher: move the paddle with the arrow keys and catch the falling stars.
SuperStrict

Framework SDL.SDLRenderMax2D
Import BRL.PolledInput
Import Fx.Particles ' sparks when a star is caught; not part of BlitzMax

?Not bmxng
Import "oldgui.bmx"
?

Rem Ideas for the next version
	A settings window: CreateWindow, CreateButton and WaitEvent would need
	MaxGUI, and CreateTimer a timer module.
End Rem

Const WIDTH:Int = 400, HEIGHT:Int = 300
Global levelFile:String = "levels.xml"

Type TStar
	Field x:Float, y:Float, speed:Float

	Method Fall()
		y :+ speed
	End Method
End Type

Type TPaddle
	Field x:Float = 170, width:Float = 60
	Field rect:Int[] = [170, 280, 60, 10]
	Field red:Int = 255, green:Int = 200, blue:Int = 40

	' The paddle's own colour, not the drawing colour.
	Method SetColor(r:Int, g:Int, b:Int)
		red = r
		green = g
		blue = b
	End Method

	Method Move(dx:Float)
		x :+ dx
		If x < 0 Then x = 0
		If x > WIDTH - width Then x = WIDTH - width
		rect = [Int(x), 280, Int(width), 10]
		If x = 0 Or x = WIDTH - width Then SetColor 255, 80, 80 Else SetColor 255, 200, 40
	End Method

	Method Draw()
		DrawBox(rect, red, green, blue)
	End Method
End Type

' Waits between frames; the name is the program's own.
Function Sleep(ms:Int)
	Local wakeAt:Int = MilliSecs() + ms
	While MilliSecs() < wakeAt
	Wend
End Function

Function DrawBox(box:Int[], r:Int, g:Int, b:Int)
	SetColor r, g, b
	DrawRect box[0], box[1], box[2], box[3]
End Function

' How many stars the paddle catches this frame; caught ones are taken out.
Function CatchStars:Int(stars:TStar[] Var, paddle:TPaddle)
	Local count:Int
	Local kept:TStar[]
	For Local star:TStar = EachIn stars
		If star.y >= 280 And star.x >= paddle.x And star.x <= paddle.x + paddle.width
			count :+ 1
		Else If star.y < HEIGHT
			kept :+ [star]
		EndIf
	Next
	stars = kept
	Return count
End Function

' The best score of each player, kept while the program runs.
Function BestScores:TMap(name:String, score:Int)
	Global map:TMap = New TMap
	Local result:Int = score
	If map.Contains(name) Then result = Max(result, Int(String(map.ValueForKey(name))))
	map.Insert(name, String(result))
	Return map
End Function

Graphics WIDTH, HEIGHT
Local paddle:TPaddle = New TPaddle
Local stars:TStar[]
Local score:Int, frame:Int
While Not KeyDown(KEY_ESCAPE) And Not AppTerminate()
	frame :+ 1
	If frame Mod 30 = 0
		Local star:TStar = New TStar
		star.x = (frame * 37) Mod WIDTH
		star.speed = 2 + frame Mod 3
		stars :+ [star]
	EndIf
	If KeyDown(KEY_LEFT) Then paddle.Move(-4)
	If KeyDown(KEY_RIGHT) Then paddle.Move(4)
	For Local star:TStar = EachIn stars
		star.Fall()
	Next
	score :+ CatchStars(stars, paddle)
	Cls
	paddle.Draw()
	SetColor 255, 255, 255
	DrawText "Score: " + score, 10, 10
	Flip
	Sleep 10
Wend
BestScores("player", score)
?Win32
MessageBeep(0)
?
