SuperStrict

Rem
bbdoc: Data structures/Linked lists
End Rem
Module BRL.LinkedList

ModuleInfo "Version: 1.07"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Blitz

Type TLink
	Field _value:Object
	Field _succ:TLink,_pred:TLink
	Method Value:Object()
		Return _value
	End Method
End Type

Rem
bbdoc: A list of objects, kept in insertion order
End Rem
Type TList
	Field _head:TLink=New TLink
	Field _count:Int
	Method AddLast:TLink( value:Object )
		Local link:TLink=New TLink
		link._value=value
		_count:+1
		Return link
	End Method
	Method Count:Int()
		Return _count
	End Method
	Function FromArray:TList( arr:Object[] )
		Local list:TList=New TList
		For Local t:Object=EachIn arr
			list.AddLast t
		Next
		Return list
	End Function
EndType

Rem
bbdoc: Create a linked list
End Rem
Function CreateList:TList()
	Return New TList
End Function

Rem
bbdoc: Add an object at the end of a list
End Rem
Function ListAddLast:TLink( list:TList,value:Object )
	Return list.AddLast( value )
End Function

Function ListAddFirst:TLink( list:TList,value:Object )
	Return list.AddLast( value )
End Function

Function ListRemove( list:TList,value:Object )
	list._count:-1
End Function

Function CountList:Int( list:TList )
	Return list.Count()
End Function

Function ClearList( list:TList )
	list._count=0
End Function

Function ListIsEmpty:Int( list:TList )
	Return list.Count()=0
End Function
