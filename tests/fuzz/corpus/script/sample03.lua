drav_set_faction_rank( context, "ferrymen", 1 )
     drav_talk( context, "Then you pull an oar for the Guild. Mind the toll and the Guild minds you." )
