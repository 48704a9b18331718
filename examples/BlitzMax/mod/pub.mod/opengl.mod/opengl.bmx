SuperStrict

Rem
bbdoc: Graphics/OpenGL 1.1
about: The OpenGL commands, declared for BlitzMax programs.
End Rem
Module Pub.OpenGL

ModuleInfo "Version: 1.01"
ModuleInfo "Author: Veltrane example installation"

Const GL_COLOR_BUFFER_BIT:Int=$4000
Const GL_DEPTH_BUFFER_BIT:Int=$100
Const GL_TRIANGLES:Int=4
Const GL_QUADS:Int=7
Const GL_TEXTURE_2D:Int=$0DE1

Extern "Os"
Function glBegin( mode:Int )
Function glEnd()
Function glClear( mask:Int )
Function glClearColor( red:Float,green:Float,blue:Float,alpha:Float )
Function glColor3f( red:Float,green:Float,blue:Float )
Function glVertex2f( x:Float,y:Float )
Function glViewport( x:Int,y:Int,width:Int,height:Int )
Function glFlush()
Function glEnable( cap:Int )
Function glDisable( cap:Int )
End Extern

Rem
bbdoc: Set up a projection that matches the pixels of the window
End Rem
Function GLOrtho2D( width:Int,height:Int )
	glViewport 0,0,width,height
End Function
