drav_set_tag( context, "trader_met" )
     drav_store( context )
