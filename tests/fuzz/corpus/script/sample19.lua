drav_message( context, "A whistle shrills from the skiff shed. Someone is coming out." )
