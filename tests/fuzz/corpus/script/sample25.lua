drav_message( context, "The basket snaps shut on your fingers." )
