SuperStrict

Rem
bbdoc: Collections/Tree maps
about: Maps kept sorted by key in a balanced tree.
End Rem
Module Collections.TreeMap

ModuleInfo "Version: 1.02"
ModuleInfo "Author: Veltrane example installation"

Import Collections.Iterator

Rem
bbdoc: Which way a walk over a tree map goes
End Rem
Enum EDirection
	Ascending
	Descending
End Enum

Rem
bbdoc: A map whose keys are kept in order
End Rem
Type TTreeMap<K, V> Implements IIterable<K>
	Field _keys:K[]
	Field _values:V[]

	Method Put(key:K, value:V)
		_keys :+ [key]
		_values :+ [value]
	End Method

	Method Get:V(key:K)
		For Local i:Int = 0 Until _keys.Length
			If _keys[i] = key Then Return _values[i]
		Next
	End Method

	Method GetIterator:IIterator<K>()
		Return Null
	End Method
End Type
