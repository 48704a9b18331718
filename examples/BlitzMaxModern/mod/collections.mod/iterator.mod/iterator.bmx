SuperStrict

Rem
bbdoc: Collections/Iterators
about: The interfaces that For ... EachIn uses to walk a collection.
End Rem
Module Collections.Iterator

ModuleInfo "Version: 1.00"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Blitz

Rem
bbdoc: Walks the elements of a collection, one after the other
End Rem
Interface IIterator<T>
	Method Current:T()
	Method MoveNext:Int()
End Interface

Rem
bbdoc: A collection that For ... EachIn can walk
End Rem
Interface IIterable<T>
	Method GetIterator:IIterator<T>()
End Interface
