' The player's ship. Its shots live in shots.bmx beside this file.
Include "shots.bmx"

Type TPlayer
	Field x:Float, y:Float
	Field image:TImage = LoadImage("gfx/ship.png")
	Field shots:TList = New TList

	Method Update()
		If KeyDown(KEY_LEFT) Then x :- 4
		If KeyDown(KEY_RIGHT) Then x :+ 4
		x = Clamp(x, 16, 624)
		For Local shot:TShot = EachIn shots
			If Not shot.Move() Then shots.Remove(shot)
		Next
	End Method

	Method Fire()
		shots.AddLast(TShot.Create(x, y - 16))
	End Method

	Method ShotHits:Int(targetX:Float, targetY:Float, radius:Float)
		For Local shot:TShot = EachIn shots
			If DistanceSquared(shot.x, shot.y, targetX, targetY) < radius * radius
				shots.Remove(shot)
				Return True
			EndIf
		Next
		Return False
	End Method

	Method Draw()
		SetColor 255, 255, 255
		DrawImage image, x, y
		For Local shot:TShot = EachIn shots
			shot.Draw()
		Next
	End Method
End Type
