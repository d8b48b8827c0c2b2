return drav_check_tag( context, "boatwright_found" )
