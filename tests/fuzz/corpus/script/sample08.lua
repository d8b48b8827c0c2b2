drav_talk( context, "News? There is only the one story on the landing this week." )
     drav_goto_state( context, "boatwright" )
