return drav_check_tag( context, "smugglers_reported" )
