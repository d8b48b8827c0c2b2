return drav_check_tag( context, "ferry_crossed" )
