if not drav_check_and_set_tag( context, "marsh_entered" ) then
     drav_message( context, "Reeds close over the lane. Somewhere ahead, a heron calls." )
    end
    drav_set_return( context, "landing" )
