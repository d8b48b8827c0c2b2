drav_diplomacy_check( context, 40, "confide", "rebuff" )
