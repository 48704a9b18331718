' Star Patrol: a small example game.
' The arrow keys steer the ship, Space fires and Escape quits.

Import BRL.LinkedList
Import "mathutil.bmx"

Include "inc/player.bmx"

Rem
Rocks fall from the top of the screen. A shot that hits one scores
ten points; a rock that reaches the bottom costs a life.
End Rem

Type TRock
	Field x:Float, y:Float = -20
End Type

Graphics 640, 480
SetClsColor 0, 0, 32

Global laser:TSound = LoadSound("sfx/laser.wav")
Global rockImage:TImage = LoadImage("gfx/rock.png")
Global rocks:TList = CreateList()
Global ship:TPlayer = New TPlayer
Global score:Int, lives:Int = 3, frame:Int
Global blink:TRetroCountdown = New TRetroCountdown
blink.frames = 15
ship.x = 320
ship.y = 440

While lives > 0 And Not KeyHit(KEY_ESCAPE)
	Cls
	frame :+ 1
	If frame Mod 45 = 0 Then
		Local rock:TRock = New TRock
		rock.x = Wrap(ship.x + 200 + frame * 7, 620) + 10
		ListAddLast rocks, rock
	EndIf

	ship.Update()
	If KeyHit(KEY_SPACE) Then ship.Fire() ; PlaySound laser

	For Local rock:TRock = EachIn rocks
		rock.y :+ 2
		If ship.ShotHits(rock.x, rock.y, 16) Or rock.y > 480
			If rock.y > 480 Then lives :- 1 Else score :+ 10
			ListRemove rocks, rock
		EndIf
		DrawImage rockImage, rock.x, rock.y
	Next

	ship.Draw()
	If lives = 1 And blink.Tick() Then SetColor 255, 0, 0 Else SetColor 255, 255, 0
	DrawText "Score " + ScoreText(score) + "  Lives " + lives, 10, 10
	Flip
Wend
End
