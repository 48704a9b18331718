SuperStrict

Rem
bbdoc: Data structures/Maps
about: Maps from object keys to object values, kept in key order.
End Rem
Module BRL.Map

ModuleInfo "Version: 1.08"
ModuleInfo "Author: Veltrane example installation"

Import Collections.TreeMap

Rem
bbdoc: A map of objects to objects
End Rem
Type TMap
	Field _tree:TTreeMap<Object, Object> = New TTreeMap<Object, Object>

	Method Insert(key:Object, value:Object)
		_tree.Put(key, value)
	End Method

	Method ValueForKey:Object(key:Object)
		Return _tree.Get(key)
	End Method

	Method Contains:Int(key:Object)
		Return _tree.Get(key) <> Null
	End Method
End Type

Rem
bbdoc: Create an empty map
End Rem
Function CreateMap:TMap()
	Return New TMap
End Function

Function MapInsert(map:TMap, key:Object, value:Object)
	map.Insert(key, value)
End Function

Function MapValueForKey:Object(map:TMap, key:Object)
	Return map.ValueForKey(key)
End Function

Function MapContains:Int(map:TMap, key:Object)
	Return map.Contains(key)
End Function
