SuperStrict

Rem
bbdoc: Streams/HTTP streams
about: Lets OpenStream and friends read urls that begin with http::
End Rem
Module BRL.HTTPStream

ModuleInfo "Version: 1.02"
ModuleInfo "Author: Veltrane example installation"

Import BRL.Stream

Type THTTPStreamFactory Extends TStreamFactory
	Function OpenStreamFrom:TStream( url:Object,readable:Int,writeable:Int )
		Local address:String=String(url)
		If address[..6]<>"http::" Return Null
		Return New TStream
	End Function
End Type

Rem
bbdoc: Split an http:: url into its host and path
End Rem
Function HTTPHostAndPath:String[]( url:String )
	Local rest:String=url[6..]
	Local slash:Int=rest.Find("/")
	If slash<0 Return [rest,"/"]
	Return [rest[..slash],rest[slash..]]
End Function
