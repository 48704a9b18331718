' Small number helpers shared by the game's files.
Strict

' value brought into 0 .. size, also for negative values
Function Wrap:Float(value:Float, size:Float)
	value = value Mod size
	If value < 0 Then value :+ size
	Return value
End Function

Function Clamp:Float(value:Float, low:Float, high:Float)
	If value < low Then Return low
	If value > high Then Return high
	Return value
End Function

Function DistanceSquared:Float(x1:Float, y1:Float, x2:Float, y2:Float)
	Return (x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1)
End Function

' The score as six digits, with leading zeros.
Function ScoreText:String(score:Int)
	Return Right("000000" + score, 6)
End Function
