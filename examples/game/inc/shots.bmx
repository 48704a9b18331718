' A shot climbs the screen until it leaves the top.
Type TShot
	Field x:Float, y:Float

	Function Create:TShot(x:Float, y:Float)
		Local shot:TShot = New TShot
		shot.x = x
		shot.y = y
		Return shot
	End Function

	' False once the shot has left the screen.
	Method Move:Int()
		y :- 8
		Return y > -8
	End Method

	Method Draw()
		SetColor 255, 64, 64
		DrawRect x - 1, y - 6, 2, 8
	End Method
End Type
